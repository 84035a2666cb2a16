// Prints the lines of a line file (RTF or plain, Windows-1251) as UTF-8, one
// per output line, so scripts can check what the program wrote.
//   tarmel-print-lines FILE

#include "cp1251.h"
#include "errors.h"
#include "line_file.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: tarmel-print-lines FILE\n";
        return 2;
    }
    try {
        for (const auto& line : tarmel::readLineFile(argv[1]))
            std::cout << tarmel::cp1251::toUtf8(line) << '\n';
    } catch (const tarmel::Error& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
