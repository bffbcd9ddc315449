// Takes the one-instance mark and reports: "acquired" (then holds it until
// stdin closes) or "busy".
#include "app/singleinstance.h"

#include <cstdio>

int main()
{
    SingleInstance instance;
    if (!instance.acquire()) {
        std::puts("busy");
        return 0;
    }
    instance.markRunning();
    std::puts("acquired");
    std::fflush(stdout);
    while (std::getchar() != EOF) {}
    return 0;
}
