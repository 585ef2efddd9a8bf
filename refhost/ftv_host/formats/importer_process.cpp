#include "formats/importer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>
#include <stdexcept>

#include "formats/input_error.h"

namespace ftv_cli {

namespace {

// Assimp's glTF reader, among others, recurses once per level of nodes: the
// child reads on a stack this large, so that a file nested far deeper than
// any real one still reaches the nesting limit's one line.
constexpr std::size_t kChildStack = 256u << 20;
// The end of the log kept: Assimp can warn thousands of times.
constexpr std::size_t kLogKept = 64u << 10;
// The child's exit statuses that say why it stopped.
constexpr int kOutOfMemory = 3;
constexpr int kThrew = 4;

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

void limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit value{soft, hard};
    setrlimit(resource, &value);
}

struct ChildJob {
    const std::function<void(int)>* work;
    int answer;
};

void* run_job(void* job_pointer) {
    const auto& job = *static_cast<ChildJob*>(job_pointer);
    try {
        (*job.work)(job.answer);
    } catch (const std::bad_alloc&) {
        _exit(kOutOfMemory);
    } catch (...) {
        _exit(kThrew);
    }
    return nullptr;
}

[[noreturn]] void child_main(int answer, int log, const ImporterLimits& limits, const std::function<void(int)>& work) {
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    close(log);
    limit(RLIMIT_CORE, 0, 0);  // a crash leaves no file behind
    limit(RLIMIT_FSIZE, limits.memory, limits.memory);  // the answer, too, within the memory limit
    const auto cpu = static_cast<rlim_t>(std::ceil(limits.seconds)) + 1;
    limit(RLIMIT_CPU, cpu, cpu + 1);
    std::uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    if (pages > 0) {
        const std::uint64_t space = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) + limits.memory;
        rlimit now{};
        if (getrlimit(RLIMIT_AS, &now) == 0 && (now.rlim_cur == RLIM_INFINITY || now.rlim_cur > space))
            limit(RLIMIT_AS, space, now.rlim_max);
    }
#ifdef FTV_IMPORTER_TEST_HOOK
    // Tests make the importer crash this way, whatever Assimp's faults are.
    if (const char* number = std::getenv("FTV_TEST_IMPORTER_RAISES")) raise(std::atoi(number));
#endif
    ChildJob job{&work, answer};
    pthread_attr_t attributes;
    pthread_t thread;
    const bool own_stack = pthread_attr_init(&attributes) == 0 &&
                           pthread_attr_setstacksize(&attributes, kChildStack) == 0 &&
                           pthread_create(&thread, &attributes, run_job, &job) == 0;
    if (own_stack) {
        pthread_join(thread, nullptr);
    } else {
        run_job(&job);
    }
    _exit(0);
}

std::string signal_name(int number) {
    const char* abbreviation = sigabbrev_np(number);
    const char* words = strsignal(number);
    return (abbreviation != nullptr ? "SIG" + std::string(abbreviation) : "signal " + std::to_string(number)) +
           (words != nullptr ? " (" + std::string(words) + ")" : "");
}

// The last line of the log that says what went wrong: a failed assertion,
// an uncaught exception, or an error Assimp logged; else its last warning.
std::string last_message(const std::string& log) {
    std::string warning;
    std::size_t end = log.size();
    while (end > 0) {
        const std::size_t start = log.rfind('\n', end - 1) == std::string::npos ? 0 : log.rfind('\n', end - 1) + 1;
        std::string line = log.substr(start, end - start);
        end = start == 0 ? 0 : start - 1;
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
        std::string found;
        if (const auto at = line.find("Assertion `"); at != std::string::npos) found = line.substr(at);
        else if (const auto what = line.find("what():"); what != std::string::npos) found = line.substr(what + 7);
        else if (line.rfind("Error,", 0) == 0 && line.find(": ") != std::string::npos) found = line.substr(line.find(": ") + 2);
        else if (warning.empty() && line.rfind("Warn,", 0) == 0 && line.find(": ") != std::string::npos)
            warning = line.substr(line.find(": ") + 2);
        while (!found.empty() && found.front() == ' ') found.erase(0, 1);
        if (!found.empty()) return found.substr(0, 300);
    }
    return warning.substr(0, 300);
}

// The child's answer, from the file it wrote: all of it, or empty when it
// cannot be read.
std::string answer_in(int file, const ImporterLimits& limits, bool& too_large) {
    struct stat status {};
    if (fstat(file, &status) != 0) return "";
    const auto size = static_cast<std::uint64_t>(status.st_size);
    too_large = size > limits.memory;
    if (too_large) return "";
    std::string answer(size, '\0');
    for (std::size_t done = 0; done < answer.size();) {
        const ssize_t n = pread(file, answer.data() + done, answer.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return "";
        done += static_cast<std::size_t>(n);
    }
    return answer;
}

}  // namespace

ImporterLimits limits_for(const std::string& file, double seconds) {
    ImporterLimits limits;
    struct stat status {};
    const double megabytes = stat(file.c_str(), &status) == 0 ? static_cast<double>(status.st_size) / (1 << 20) : 0;
    limits.seconds = seconds > 0 ? seconds : 10 + std::floor(megabytes);
    return limits;
}

std::string importer_stopped(const std::string& what, const std::string& log) {
    const std::string said = last_message(log);
    return "the importer stopped: " + what + (said.empty() ? "" : "; Assimp's last message: " + said);
}

std::string needed_more_memory(const ImporterLimits& limits) {
    return "needed more than " + seconds_text(static_cast<double>(limits.memory) / (1ull << 30)) + " GB";
}

std::string run_importer(const std::string& file, const ImporterLimits& limits,
                         const std::function<void(int answer)>& work) {
    // The answer goes to a file in memory, which the child fills at its own
    // pace and ftv-host reads once the child has ended; the log through a pipe,
    // whose end tells that the child has.
    const int answer_file = memfd_create("ftv-host-importer-answer", MFD_CLOEXEC);
    if (answer_file < 0) throw std::runtime_error(std::string("memfd_create: ") + std::strerror(errno));
    int log_pipe[2];
    if (pipe2(log_pipe, O_CLOEXEC) != 0) {
        close(answer_file);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(log_pipe[0]);
        child_main(answer_file, log_pipe[1], limits, work);
    }
    close(log_pipe[1]);
    if (child < 0) {
        close(answer_file);
        close(log_pipe[0]);
        throw std::runtime_error(std::string("cannot start the importer: ") + std::strerror(errno));
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(limits.seconds);
    std::string log;
    bool timed_out = false;
    pollfd end{log_pipe[0], POLLIN, 0};
    char buffer[1 << 16];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timed_out = true;
            break;
        }
        if (poll(&end, 1, static_cast<int>(std::min<long long>(left, 1000))) < 0 && errno != EINTR) break;
        if (end.revents == 0) continue;
        const ssize_t n = read(end.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        log.append(buffer, static_cast<std::size_t>(n));
        if (log.size() > 2 * kLogKept) log.erase(0, log.size() - kLogKept);
    }
    close(end.fd);
    if (timed_out) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    bool too_large = false;
    const std::string answer = timed_out ? "" : answer_in(answer_file, limits, too_large);
    close(answer_file);

    const std::string took_longer = "took longer than " + seconds_text(limits.seconds) + " s";
    std::string what;
    if (timed_out) {
        what = took_longer;
    } else if (WIFSIGNALED(status)) {
        const int number = WTERMSIG(status);
        what = number == SIGXCPU                                                     ? took_longer
               : number == SIGXFSZ || log.find("bad_alloc") != std::string::npos ? needed_more_memory(limits)
                                                                                   : signal_name(number);
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == kOutOfMemory) {
        what = needed_more_memory(limits);
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        what = "it ended with status " + std::to_string(WEXITSTATUS(status));
    } else if (too_large) {
        what = needed_more_memory(limits);
    } else {
        return answer;
    }
    throw InputError(file, "", importer_stopped(what, log));
}

}  // namespace ftv_cli
