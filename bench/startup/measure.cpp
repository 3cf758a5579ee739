// Runs one program to its end and prints what it cost: "<wall ms> <cpu ms> <peak KiB>", the
// processor time being user and system time together, in microseconds' precision (the shell's
// `time` rounds to ten milliseconds). The program's own output goes to /dev/null.
//
//   measure <program> [arguments...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: measure <program> [arguments...]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return 1;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return 1;
  const auto wall = std::chrono::steady_clock::now() - start;
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  std::printf("%.1f %.1f %ld\n", std::chrono::duration<double, std::milli>(wall).count(),
              ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_maxrss);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
