#include <cstdio>

// Placeholder until the PLUMEX entry lands.
int main() {
  std::printf("PLUMEX\n");
  return 1;
}
