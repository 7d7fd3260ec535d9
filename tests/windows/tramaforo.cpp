// Stands for the sibling program in the Windows tests, as a shell script does on Linux:
// writes its name and its arguments, one a line, to argomenti.txt in the directory it
// was started from, and ends with 7, a status the hand-over must not pass on.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  std::FILE* f = std::fopen("argomenti.txt", "wb");
  if (f == nullptr) return 1;
  std::string nome = argc > 0 ? argv[0] : "";
  const std::size_t barra = nome.find_last_of("\\/");
  if (barra != std::string::npos) nome.erase(0, barra + 1);
  std::fprintf(f, "%s\n", nome.c_str());
  for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
  std::fclose(f);
  return 7;
}
