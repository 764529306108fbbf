// Code pages: conversion between 8-bit text in a code page and UTF-16, with our own tables.
// Every single-byte code page maps all 256 bytes to distinct UTF-16 code units and back,
// so that mis-encoded text survives a round trip through the editor unchanged.
// Single-byte code pages: 1250-1258, 437, 850, 855, 866, 10000 (Mac Roman), 10007 (Mac
// Cyrillic), 20866 (KOI8-R), 21866 (KOI8-U), 28591-28595 (ISO 8859-1 to 5); multi-byte: 65001.
#pragma once

#include <string>
#include <string_view>

// Pseudo code pages understood by every routine here.
inline constexpr unsigned CP_ACP = 0;      // the system ("ANSI") code page
inline constexpr unsigned CP_OEMCP = 1;    // the system OEM code page
inline constexpr unsigned CP_UTF8 = 65001;

// The system ("ANSI") code page: 1251 unless set otherwise; never taken from the environment.
unsigned SystemCodePage();
// Sets the system code page; raises EConvertError for a code page we have no single-byte table for.
void SetSystemCodePage(unsigned codePage);
// The system OEM code page (866 while the system code page is 1251, 437 for 1252, ...).
unsigned OemCodePage();
// CP_ACP and CP_OEMCP to the code pages they stand for; any other code page unchanged.
unsigned ResolveCodePage(unsigned codePage);
// True when conversions know the code page (after resolving CP_ACP and CP_OEMCP).
bool IsCodePageSupported(unsigned codePage);

// 8-bit text in `codePage` to UTF-16 (MultiByteToWideChar without flags). An unknown code page
// raises EConvertError.
std::u16string AnsiToWide(std::string_view text, unsigned codePage = CP_ACP);
// UTF-16 to 8-bit text in `codePage` (WideCharToMultiByte without flags): a character the code
// page cannot hold becomes '?' (one per character, so one for a surrogate pair), and `lossy`
// (when given) is set to true; it is left alone otherwise.
std::string WideToAnsi(std::u16string_view text, unsigned codePage = CP_ACP, bool* lossy = nullptr);

// UTF-8 <-> UTF-16, for the boundaries with the operating system and Qt. Each invalid UTF-8
// sequence (maximal ill-formed subpart) and each unpaired surrogate becomes U+FFFD.
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);
// System-code-page text <-> UTF-8 (file names, messages handed to the operating system).
std::string AnsiToUtf8(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);
