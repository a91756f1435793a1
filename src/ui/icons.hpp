#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace quorvex::icons {

// The program's pictures, drawn in code so they stay crisp at any scale and need no files.
// Shared by the schedule window and the tray icon.

// The 16 x 16 picture of a JobType (1 repair and compact, 2 auto execute, 3 backup); a plain
// document for any other value.
QIcon jobType(int jobType);

// The status lights: a small round lamp, lit or dark, in the light's colour (0 and 1 at the
// left place, 2 and 3 at the right).
QPixmap light(int index, int size);

// The toolbar buttons' pictures.
enum class Button { New, Remove, Open, Copy, Execute };
QIcon button(Button which);

// The program's own icon: the windows' icon and the tray icon.
QIcon application();
// The same picture painted into the square (0, 0, size, size) of any paint device; the
// installed icon files are made from it.
void paintApplication(QPainter& painter, qreal size);

// The job definition wizard's header picture: a job sheet with a pencil.
QIcon wizard();
// The browse buttons' picture: an open folder.
QIcon browse();

} // namespace quorvex::icons
