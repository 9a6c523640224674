#include "plumex/run/console.h"

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

void wait_for_key_if_terminal() {
  std::fflush(stdout);
#if defined(_WIN32)
  if (!_isatty(0)) return;
  _getch();
#else
  if (!isatty(STDIN_FILENO)) return;
  termios saved{};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios single_key = saved;
  single_key.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  single_key.c_cc[VMIN] = 1;
  single_key.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &single_key);
  // Without canonical mode one key press is enough to wake poll(); the key
  // itself stays unread.
  pollfd key{STDIN_FILENO, POLLIN, 0};
  while (poll(&key, 1, -1) < 0) {
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
#endif
}

void pause_for_key() {
#if defined(_WIN32)
  bool is_terminal = _isatty(0) != 0;
#else
  bool is_terminal = isatty(STDIN_FILENO) != 0;
#endif
  if (!is_terminal) return;
  std::printf("Press any key to continue . . . ");
  wait_for_key_if_terminal();
  std::printf("\n");
}
