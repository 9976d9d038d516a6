// Writes a generated module of N lines as an exported .bas file, for timing the command.
#include "ModuleGenerator.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: generate_module LINES FILE.bas\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << "Attribute VB_Name = \"Generated\"\r\n" << quillmark::bench::GenerateModule(std::atoi(argv[1]));
    return out ? 0 : 1;
}
