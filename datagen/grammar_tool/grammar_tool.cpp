// qm_grammargen: writes an engine rule file. Reads a grammar source (UTF-8 INI text),
// converts it to code page 1251, enciphers each line with the engine's line cipher (key 0) and
// writes it with CR LF line ends; then reads the written file back through the decipher and
// fails unless every line comes back as it was.
//   qm_grammargen <source.ini> <output.qge>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "proofing/grammar_cipher.h"
#include "textcore/decipher.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: qm_grammargen <source.ini> <output.qge>\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      bool lossy = false;
      lines.push_back(WideToAnsi(Utf8ToWide(line), 1251, &lossy));
      if (lossy) throw std::runtime_error("line " + std::to_string(lines.size()) + " has a character outside code page 1251");
    }
    const std::vector<std::string> enciphered = EncipherLines(lines, 0, kGrammarMultiplier);
    {
      std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
      for (const std::string& e : enciphered) out << e << "\r\n";
      if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    }
    std::ifstream back(argv[2], std::ios::binary);
    std::stringstream content;
    content << back.rdbuf();
    std::string text = content.str();
    size_t index = 0, pos = 0;
    while (pos < text.size()) {
      const size_t end = text.find("\r\n", pos);
      const std::string stored = text.substr(pos, end - pos);
      if (index >= lines.size() || DecipherString(stored, 0, kGrammarMultiplier, kDecipherAddend) != lines[index])
        throw std::runtime_error("line " + std::to_string(index + 1) + " does not read back");
      ++index;
      pos = end == std::string::npos ? text.size() : end + 2;
    }
    if (index != lines.size()) throw std::runtime_error("the written file has a different number of lines");
  } catch (const std::exception& e) {
    std::cerr << "qm_grammargen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
