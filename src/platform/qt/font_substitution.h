#pragma once

#include <QString>
#include <string>

// Families of the other window system that text asks for by name, drawn with
// installed families that cover the same scripts.
namespace platform {

// The installed family to draw a requested one with; the system's general
// font when nothing better is installed. Remembered per requested name.
QString ResolveFontFamily(const std::wstring& requested);

// Where glyphs that a family lacks come from before anything else.
QString GlyphFallbackFamily();

}  // namespace platform
