// bench-echo SCRIPT: reads a script and writes its lines back, as the
// scripted player reads one: the floor of a program that starts, reads the
// script and writes a transcript, for the headless run's figure.
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: bench-echo SCRIPT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "bench-echo: cannot read " << argv[1] << "\n";
        return 2;
    }
    for (std::string line; std::getline(in, line);) std::cout << line << '\n';
    return 0;
}
