// Starts a program on the X display and reports how long it took until it
// mapped its first top-level window, and its resident memory once shown:
//   map_timer SETTLE_MS PROGRAM [ARGS...]
// prints "<seconds to map> <resident kB>" and ends the program it started.

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_timer SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map_timer: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so the server watches the root before the program starts.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    bool mapped = false;
    double seconds = 0;
    while (!mapped) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "map_timer: %s ended before it showed a window\n", argv[2]);
            return 1;
        }
        if (poll(&watch, 1, 100) <= 0)
            continue;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && !mapped) {
                seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                mapped = true;
            }
            std::free(event);
        }
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long resident = residentKilobytes(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);
    std::printf("%.6f %ld\n", seconds, resident);
    return 0;
}
