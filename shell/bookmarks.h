// Bookmarks of a document: positions with the first visible line when they were made, kept
// in step with edits and stored beside the document in its ".qb" file.
#pragma once

#include <string>
#include <vector>

struct TBookmark {
  int Position = 0;  // 0-based editor position
  int TopLine = 0;   // the first visible line when the bookmark was made
  std::string Name;  // code page 1251, one line
};

// The name of bookmark `number`: the number, and with a selection ". " and its trimmed text
// (line breaks as blanks), cut to 30 characters and "..." appended.
std::string BookmarkName(int number, const std::string& selectedText);
// The bookmarks file of a document: its whole name with ".qb" appended, so that "a.txt" and
// "a.rtf" keep files of their own.
std::string BookmarkFileName(const std::string& documentName);
// Moves the bookmarks after an edit that changed the text length by `lengthDelta` and the
// line count by `lineDelta`, leaving the caret at `caret`: an insertion ends at the caret and
// moves the bookmarks from its start on; a deletion starts at the caret and puts the bookmarks
// inside it at the caret.
void MoveBookmarks(std::vector<TBookmark>& bookmarks, int caret, int lengthDelta, int lineDelta);
// Puts each bookmark inside a document of `length` characters and `lines` lines (a bookmarks
// file may have been written for another text, or by someone else).
void ClampBookmarks(std::vector<TBookmark>& bookmarks, int length, int lines);
// The file's lines "position|top line=name", CR LF after each.
std::string FormatBookmarks(const std::vector<TBookmark>& bookmarks);
// The bookmarks of a file's text; a damaged line is skipped.
std::vector<TBookmark> ParseBookmarks(const std::string& text);
