// Reading printed PDF files back as text with poppler's `pdftotext`.
#pragma once

#include <cstdio>
#include <string>

// The text of `pdf` ("" when pdftotext cannot run); pages end in a form feed.
inline std::string PdfText(const std::string& pdf, const char* options = "-layout") {
  std::string text;
  FILE* pipe = popen(("pdftotext " + std::string(options) + " '" + pdf + "' - 2>/dev/null").c_str(), "r");
  if (!pipe) return text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  pclose(pipe);
  return text;
}

inline int PageCount(const std::string& text) {
  int pages = 0;
  for (char c : text) pages += c == '\f';
  return pages;
}

// The first page's size in points as pdfinfo reports it ("612 x 792"), "" without pdfinfo.
inline std::string PdfPageSize(const std::string& file) {
  std::string info;
  if (FILE* pipe = popen(("pdfinfo '" + file + "' 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) info.append(buffer, n);
    pclose(pipe);
  }
  const size_t at = info.find("Page size:");
  if (at == std::string::npos) return "";
  const size_t from = info.find_first_not_of(' ', at + 10), to = info.find(" pts", from);
  return info.substr(from, to - from);
}
