#include "support/desktop.hpp"

#include <iostream>

int main()
{
    std::cerr << "usage: quorvexctl list [--app-dir DIR]" << std::endl;
    return 2;
}
