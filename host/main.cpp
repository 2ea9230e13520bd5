#include <cstdio>

int main() {
  std::fputs("Vell: the main window is not built yet.\n", stderr);
  return 0;
}
