#include <iostream>
#include <string>
#include <vector>

#include "view/viewer.h"

int main(int argc, char** argv) {
  return gencampi::view::run_viewer(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                    std::cerr);
}
