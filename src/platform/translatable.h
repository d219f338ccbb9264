#pragma once

// An English text marked for translation where it is written, and translated in
// its context only where it is shown. Translation tools find it when told that
// TRANSLATABLE marks texts as QT_TRANSLATE_NOOP does
// (lupdate -tr-function-alias QT_TRANSLATE_NOOP+=TRANSLATABLE).
namespace platform {

struct TranslatableText {
  const char* context;
  const char* source;
};

}  // namespace platform

#define TRANSLATABLE(context, source) (platform::TranslatableText{context, source})
