#include "agent/app_setup.hpp"

int main(int argc, char** argv)
{
    return quorvex::runAgent(argc, argv);
}
