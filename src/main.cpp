#include "app/talvoeditz.h"

int main(int argc, char **argv)
{
    return runTalvoEditZ(argc, argv);
}
