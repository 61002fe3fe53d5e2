#include "SimTool.h"

#include <iostream>

int main(int argc, char **argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return zentrava::SimTool(std::cout, std::cerr).run(arguments);
}
