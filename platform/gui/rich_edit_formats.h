// Private to the rich edit control: its formats kept in Qt's text formats. Every field of the
// document model is stored exactly in a property of its own, so that what Qt cannot show
// (hidden, emboss, language...) survives; what Qt can show is shown as well.
#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>

class QTextDocument;

#include "platform/rich_text.h"

namespace rich_edit {

// Property of an object character: the object's number in the control's object table.
inline constexpr int ObjectIdProperty = QTextFormat::UserProperty + 100;

// Writes the fields of `mask` (CFM_ bits) of `format` into `target`, with their display.
void ApplyCharFormat(QTextCharFormat& target, const TCharFormat& format, uint32_t mask);
// The model format of a Qt format; fields the Qt format does not hold come from `defaults`.
TCharFormat ReadCharFormat(const QTextCharFormat& source, const TCharFormat& defaults);
// Shows a whole format's offset (twips) as Qt's baseline shift, a share of its font size.
void ShowOffset(QTextCharFormat& format);
// Makes `change`, link marking (link attribute, colour, underline) about to be merged over text
// of format `current`, display only: the text keeps a record of its format before the marking.
void MarkAutoLink(QTextCharFormat& change, const QTextCharFormat& current, const TCharFormat& defaults);
// Whether a Qt format carries display-only link marking.
bool IsAutoLink(const QTextCharFormat& format);
// The format of a Qt format as the text stores it: fields that display-only link marking
// still holds get back the values they had before it.
TCharFormat StoredCharFormat(const QTextCharFormat& source, const TCharFormat& defaults);
// The CFM_ bits of the fields in which two formats differ.
uint32_t CharFormatDifference(const TCharFormat& a, const TCharFormat& b);

// The same for paragraph formats (PFM_ bits).
void ApplyParaFormat(QTextBlockFormat& target, const TParaFormat& format, uint32_t mask);
TParaFormat ReadParaFormat(const QTextBlockFormat& source);
uint32_t ParaFormatDifference(const TParaFormat& a, const TParaFormat& b);

// Shows the numbering of the paragraphs from block `first` to block `last` as Qt lists
// (paragraphs numbered alike in a row share a list).
void ShowNumbering(QTextDocument& document, int first, int last);

// Twips to the document's pixels (96 per inch) and back.
inline double TwipsToPixels(int twips) { return twips / 15.0; }

}  // namespace rich_edit
