#include "app.h"

int main(int argc, char** argv)
{
    return tarmel::runProgram(argc, argv);
}
