// The idle reference: a thread that does nothing but wake twice a second, as the connection
// watch does with its 500 ms read time-out. What it costs is what one wake-up costs on the
// machine the bench runs on.
#include <poll.h>

int main()
{
    for (;;)
        poll(nullptr, 0, 500);
}
