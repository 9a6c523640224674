#include "ldastat/run/console.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <conio.h>
#include <io.h>
#else
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

void fail_run(int status, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
  std::exit(status);
}

void* allocate_run_memory(std::size_t count, std::size_t size, const char* what) {
  void* memory = std::calloc(count, size);
  if (memory == nullptr)
    fail_run(exit_out_of_memory, "\n not enough memory for %s (%zu bytes)!\n", what, count * size);
  return memory;
}

void wait_for_key_if_terminal() {
  std::fflush(stdout);
#if defined(_WIN32)
  if (!_isatty(0)) return;
  while (!_kbhit()) {
  }
#else
  if (!isatty(STDIN_FILENO)) return;
  termios saved{};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  // poll() only reports that a key is waiting; the key stays unread.
  pollfd wait_for{STDIN_FILENO, POLLIN, 0};
  while (poll(&wait_for, 1, -1) < 0) {
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
#endif
}
