// The idle reference: a thread that does nothing but wake twice a second, as the connection
// watch does with its 500 ms read time-out. What it costs is what one wake-up costs on the
// machine the bench runs on.
#include <csignal>
#include <poll.h>
#include <sys/prctl.h>

int main()
{
    // Ends with the bench, however the bench ends: an interrupted run leaves no loop behind.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    for (;;)
        poll(nullptr, 0, 500);
}
