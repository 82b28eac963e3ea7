// Runs tavisk-engine from the program folder as a child process and talks to it
// line by line, as an interface does.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

class EngineProcess {
  public:
    EngineProcess() {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        signal(SIGPIPE, SIG_IGN);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            execl("./tavisk-engine", "tavisk-engine", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
    }

    ~EngineProcess() {
        closeInput();
        if (!ended(2000)) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }

    bool started() const { return pid_ > 0 && in_ >= 0; }

    void send(const std::string& line) {
        std::string text = line + "\n";
        ssize_t written = write(in_, text.data(), text.size());
        (void)written;
    }

    void closeInput() {
        if (in_ >= 0) close(in_);
        in_ = -1;
    }

    // The next output line without its end; "<timeout>" or "<eof>" when there is none.
    std::string readLine(int timeoutMs = 10000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return "<timeout>";
            char chunk[4096];
            ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) return "<eof>";
            buffer_.append(chunk, n);
        }
    }

    // Reads lines until one begins with prefix and returns it (or "<timeout>", "<eof>");
    // every line read is kept in `seen`.
    std::string readUntil(const std::string& prefix, int timeoutMs = 20000) {
        for (;;) {
            std::string line = readLine(timeoutMs);
            seen.push_back(line);
            if (line.rfind(prefix, 0) == 0 || line == "<timeout>" || line == "<eof>") return line;
        }
    }

    // Whether the process has ended, waiting up to timeoutMs.
    bool ended(int timeoutMs) {
        for (int waited = 0; pid_ > 0 && waited <= timeoutMs; waited += 20) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_)
                pid_ = -1;
            else
                usleep(20000);
        }
        return pid_ <= 0;
    }

    std::vector<std::string> seen;

  private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};
