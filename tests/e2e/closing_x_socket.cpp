// An X display that cannot be reached but counts who tries: it listens on the
// socket path given, closes every connection at once (so the client sees an X
// server that went away) and keeps the number of connections so far in a file.
//
//   closing_x_socket SOCKET_PATH COUNT_FILE      (runs until killed)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    sockaddr_un address{};
    if (argc != 3 || std::strlen(argv[1]) >= sizeof address.sun_path) {
        std::fprintf(stderr, "usage: closing_x_socket SOCKET_PATH COUNT_FILE\n");
        return 2;
    }
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, argv[1]);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        chmod(argv[1], 0777) != 0 || listen(listener, 8) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    for (int count = 0;; ++count) {
        // Written before each wait: a reader sees the count of every connection taken.
        if (std::FILE* file = std::fopen(argv[2], "w")) {
            std::fprintf(file, "%d\n", count);
            std::fclose(file);
        }
        const int connection = accept(listener, nullptr, nullptr);
        if (connection >= 0) close(connection);
    }
}
