// The form reader: builds a form from its text layout (forms/<ClassName>.qfm, described in
// forms/README.md). It makes each component by class name from the class registry, sets its
// published properties by name, binds events to the form's handlers of the named handler and
// fills the form's fields. Layouts are compiled into the program by qm_embed_forms (cmake/Forms.cmake).
// A bad layout raises EConvertError naming the file, the line and what is wrong.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TComponent;

// Registers the UTF-8 layout text of a form class, compiled-in data that is kept, not copied.
void RegisterFormLayout(const std::string& className, const std::string& sourceName, std::string_view text);
// True when a layout is registered for the class.
bool HasFormLayout(const std::string& className);
// Reads the layout registered for the class of `root` into `root`; EInvalidOperation when the
// class has none.
void ReadComponentRes(TComponent& root);
// Reads a layout text into `root`; `sourceName` names the text in error messages.
void ReadLayout(TComponent& root, std::string_view text, const std::string& sourceName);

// A layout compiled into the program, registered when the program starts.
struct TFormLayoutRegistrar {
  TFormLayoutRegistrar(const char* className, const char* sourceName, const unsigned char* data, size_t size) {
    RegisterFormLayout(className, sourceName, std::string_view(reinterpret_cast<const char*>(data), size));
  }
};
