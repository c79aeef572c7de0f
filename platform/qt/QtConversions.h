#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

#include "platform/WindowDescription.h"

// How the program's plain data (twips, 0x00BBGGRR colours, font descriptors, embedded
// pictures, UTF-8 texts) becomes Qt's.
namespace avo::qt {

QString ToQString(std::string_view text);
std::string ToUtf8(const QString& text);

QRect ToPixels(const TwipsRect& bounds);

// The palette role that stands for a Windows system colour (COLOR_BTNFACE is the button
// face, COLOR_WINDOW the background of text fields, and so on).
QPalette::ColorRole SystemColourRole(std::uint8_t index);
// Plain colours as they are; system colours as the application's palette has them now.
QColor ToQColor(Colour colour);

// The font in the installed family that draws the descriptor's face.
QFont ToQFont(const FontDescriptor& font);
// The installed family that draws a face the windows ask for. Windows faces go to their
// closest Linux look-alikes, chosen once per face from the installed families, so that
// neither fontconfig's substitution nor its fallback list decides what a window looks like.
QString InstalledFamily(std::string_view face);

// Decoded from the embedded bytes; null when there are none or they do not decode.
QPixmap DecodePicture(const EmbeddedFile* file);
// Every size the icon file carries, the deepest image of each, decoded when first asked for.
QIcon DecodeIcon(const PictureDescription& icon);

}  // namespace avo::qt
