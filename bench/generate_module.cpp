// Writes a generated module of N lines as an exported .bas file, for timing the command; NAME
// (default Generated) is its VB_Name.
#include "ModuleGenerator.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: generate_module LINES FILE.bas [NAME]\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << "Attribute VB_Name = \"" << (argc == 4 ? argv[3] : "Generated") << "\"\r\n"
        << quillmark::bench::GenerateModule(std::atoi(argv[1]));
    return out ? 0 : 1;
}
