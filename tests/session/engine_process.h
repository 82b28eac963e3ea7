// Runs tavisk-engine from the program folder as a child process and talks to it
// line by line, as an interface does.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

class EngineProcess {
  public:
    EngineProcess() {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
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
        signal(SIGPIPE, SIG_IGN);
    }

    ~EngineProcess() {
        if (in_ >= 0) close(in_);
        if (pid_ > 0) {
            // Give it a moment to end on its own (end of input), then make sure.
            for (int i = 0; i < 100 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i) usleep(20000);
            if (waitpid(pid_, nullptr, WNOHANG) == 0) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
        if (out_ >= 0) close(out_);
    }

    bool started() const { return pid_ > 0; }

    void send(const std::string& line) {
        std::string text = line + "\n";
        ssize_t ignored = write(in_, text.data(), text.size());
        (void)ignored;
    }

    // Closes the engine's input.
    void closeInput() {
        close(in_);
        in_ = -1;
    }

    // The next line of output without its end; "<timeout>" or "<eof>" otherwise.
    std::string readLine(int timeoutMs = 10000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            deadline - std::chrono::steady_clock::now())
                                            .count());
            if (left <= 0) return "<timeout>";
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, left) <= 0) continue;
            char chunk[4096];
            ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) {
                if (buffer_.empty()) return "<eof>";
                std::string rest = buffer_;
                buffer_.clear();
                return rest; // a last line without its end
            }
            buffer_.append(chunk, n);
        }
    }

    // Reads lines until one begins with prefix; returns it, or "<timeout>"/"<eof>".
    // Every line read is kept in `seen`.
    std::string readUntil(const std::string& prefix, int timeoutMs = 20000) {
        for (;;) {
            std::string line = readLine(timeoutMs);
            seen.push_back(line);
            if (line.rfind(prefix, 0) == 0 || line == "<timeout>" || line == "<eof>") return line;
        }
    }

    // All output up to the end of the stream.
    std::string rest(int timeoutMs = 20000) {
        std::string all;
        for (;;) {
            std::string line = readLine(timeoutMs);
            if (line == "<eof>" || line == "<timeout>") return all;
            all += line + "\n";
        }
    }

    // Whether the process has ended (waits up to timeoutMs).
    bool ended(int timeoutMs) {
        for (int waited = 0; waited <= timeoutMs; waited += 20) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return true;
            }
            usleep(20000);
        }
        return false;
    }

    std::vector<std::string> seen;

  private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};
