#include "platform/gui/form_reader.h"

#include <array>
#include <charconv>
#include <climits>
#include <cstring>
#include <map>
#include <vector>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/component.h"
#include "platform/gui/control.h"

namespace {

struct Layout {
  std::string Source;
  std::string_view Text;  // in the program's (or a plug-in's) own data
};

std::map<std::string, Layout>& Layouts() {
  static std::map<std::string, Layout> layouts;
  return layouts;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

enum class Tok { End, Ident, String, Number, Symbol };

// Character classes: letters and '_' start an identifier, digits and '.' may follow; blanks
// other than the line break separate tokens.
constexpr unsigned char kIdentStart = 1, kIdentPart = 2, kBlank = 4;
constexpr std::array<unsigned char, 256> kCharClass = [] {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool part = letter || (c >= '0' && c <= '9') || c == '.';
    const bool blank = c == ' ' || c == '\t' || c == '\r';
    classes[size_t(c)] = static_cast<unsigned char>((letter ? kIdentStart : 0) | (part ? kIdentPart : 0) | (blank ? kBlank : 0));
  }
  return classes;
}();

struct Token {
  Tok Kind = Tok::End;
  std::string Text;  // identifier, symbol, or the string's UTF-8 text
  long long Number = 0;
  int Line = 0;
};

// A parsed property value.
struct Value {
  enum Kinds { String, Number, Ident, Set, List, Collection } Kind = String;
  std::string Text;              // String (system code page), Ident
  long long Int = 0;
  std::vector<std::string> Items;  // Set (names), List (strings in the system code page)
  std::vector<std::vector<std::pair<std::string, Value>>> Elements;  // Collection items
  int Line = 0;
};

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

class Reader {
public:
  Reader(TComponent& root, std::string_view text, std::string source)
      : root_(root), text_(text), source_(std::move(source)) {
    Next();
  }

  void Run() {
    int line = tok_.Line;
    Expect("object");
    // Named variables, not a structured binding: the lambdas below capture the name.
    const auto header = Header();
    const std::string& name = header.first;
    const std::string& cls = header.second;
    if (!SameName(cls, root_.ClassName())) Fail("the layout is for " + cls + ", not for " + root_.ClassName(), line);
    root_.BeginLoading();
    Apply([&] { root_.SetName(name); }, line);
    Body(root_, &root_);
    if (tok_.Kind != Tok::End) Fail("text after the end of the form");
    for (auto& fix : fixups_) {
      TComponent* ref = root_.FindComponent(fix.Name);
      if (!ref && SameName(fix.Name, root_.Name())) ref = &root_;
      if (!ref) Fail("component " + fix.Name + " not found", fix.Line);
      Apply([&] { SetPropValue(*fix.Target, fix.Path, ref); }, fix.Line);
    }
    for (TComponent* c : created_) c->Loaded();
    root_.Loaded();
  }

private:
  struct Fixup {
    TPersistent* Target;
    std::string Path, Name;
    int Line;
  };

  [[noreturn]] void Fail(const std::string& what, int line = -1) {
    throw EConvertError(source_ + "(" + std::to_string(line < 0 ? tok_.Line : line) + "): " + what);
  }

  // Runs a property change; errors from it name the place in the layout.
  template <class F>
  void Apply(F&& f, int line) {
    try {
      f();
    } catch (const EConvertError& e) {
      Fail(e.Message, line);
    } catch (const Exception& e) {
      Fail(e.Message, line);
    } catch (const std::exception& e) {
      Fail(e.what(), line);
    }
  }

  // A number as a property's 32-bit value; hexadecimal colours up to $FFFFFFFF wrap as the
  // class library's do.
  int Int32(const Value& v, int line) {
    if (v.Int < INT_MIN || v.Int > static_cast<long long>(UINT32_MAX)) Fail("number out of range", line);
    return static_cast<int>(static_cast<uint32_t>(v.Int));
  }

  // --- tokens ---
  void SkipSpace() {
    const char* p = text_.data() + pos_;
    const char* const end = text_.data() + text_.size();
    while (p < end) {
      const char c = *p;
      if (kCharClass[static_cast<unsigned char>(c)] & kBlank) {
        ++p;
      } else if (c == '\n') {
        ++line_;
        ++p;
      } else if (c == '/' && p + 1 < end && p[1] == '/') {
        const void* eol = std::memchr(p, '\n', size_t(end - p));
        p = eol ? static_cast<const char*>(eol) : end;
      } else {
        break;
      }
    }
    pos_ = size_t(p - text_.data());
  }

  // The next token into tok_, whose text buffer is reused.
  void Next() {
    SkipSpace();
    tok_.Kind = Tok::End;
    tok_.Text.clear();
    tok_.Number = 0;
    tok_.Line = line_;
    if (pos_ >= text_.size()) return;
    char c = text_[pos_];
    if (kCharClass[static_cast<unsigned char>(c)] & kIdentStart) {
      const char* const start = text_.data() + pos_;
      const char* const end = text_.data() + text_.size();
      const char* p = start + 1;
      while (p < end && (kCharClass[static_cast<unsigned char>(*p)] & kIdentPart)) ++p;
      pos_ += size_t(p - start);
      tok_.Kind = Tok::Ident;
      tok_.Text.assign(start, p);
    } else if (c == '\'' || c == '#') {
      tok_.Kind = Tok::String;
      ReadString();
    } else if ((c >= '0' && c <= '9') || c == '-' || c == '$') {
      ReadNumber();
    } else {
      tok_.Kind = Tok::Symbol;
      tok_.Text.assign(1, c);
      ++pos_;
    }
  }

  // 'text' pieces ('' is a quote) and #code characters, joined; '+' joins across lines.
  void ReadString() {
    std::string& out = tok_.Text;
    for (;;) {
      if (pos_ < text_.size() && text_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated string");
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              out += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          out += text_[pos_++];
        }
      } else if (pos_ < text_.size() && text_[pos_] == '#') {
        ++pos_;
        size_t start = pos_;
        while (pos_ < text_.size() && isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        if (start == pos_) Fail("a character code must follow #");
        unsigned code = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + pos_, code);
        if (error != std::errc() || code > 0xFFFF) Fail("character code out of range");
        AppendUtf8(out, code);
      } else {
        size_t save = pos_;
        int saveLine = line_;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '+') {
          ++pos_;
          SkipSpace();
          if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
          Fail("a string must follow +");
        }
        pos_ = save;
        line_ = saveLine;
        break;
      }
    }
  }

  void ReadNumber() {
    size_t start = pos_;
    bool neg = text_[pos_] == '-';
    if (neg) ++pos_;
    bool hex = pos_ < text_.size() && text_[pos_] == '$';
    if (hex) ++pos_;
    size_t digits = pos_;
    while (pos_ < text_.size() && isxdigit(static_cast<unsigned char>(text_[pos_]))) {
      if (!hex && !isdigit(static_cast<unsigned char>(text_[pos_]))) break;
      ++pos_;
    }
    if (digits == pos_) Fail("bad number '" + std::string(text_.substr(start, pos_ - start + 1)) + "'");
    long long v = 0;
    const auto [end, error] = std::from_chars(text_.data() + digits, text_.data() + pos_, v, hex ? 16 : 10);
    if (error != std::errc()) Fail("number out of range");
    tok_.Kind = Tok::Number;
    tok_.Number = neg ? -v : v;
  }

  bool IsSymbol(const char* s) const { return tok_.Kind == Tok::Symbol && tok_.Text == s; }
  bool IsWord(const char* w) const { return tok_.Kind == Tok::Ident && SameName(tok_.Text, w); }
  void Expect(const char* word) {
    if (!IsWord(word)) Fail(std::string("'") + word + "' expected");
    Next();
  }
  void ExpectSymbol(const char* s) {
    if (!IsSymbol(s)) Fail(std::string("'") + s + "' expected");
    Next();
  }
  std::string Ident(const char* what) {
    if (tok_.Kind != Tok::Ident) Fail(std::string(what) + " expected");
    std::string s = tok_.Text;
    Next();
    return s;
  }

  // --- structure ---
  std::pair<std::string, std::string> Header() {
    const int line = tok_.Line;
    std::string name = Ident("component name");
    if (name.find('.') != std::string::npos) Fail(name + " is not a component name", line);
    ExpectSymbol(":");
    std::string cls = Ident("class name");
    return {name, cls};
  }

  // Properties and child objects up to 'end'.
  void Body(TPersistent& target, TComponent* container) {
    for (;;) {
      if (tok_.Kind == Tok::End) Fail("'end' expected");
      if (IsWord("end")) {
        Next();
        return;
      }
      if (IsWord("object")) {
        if (!container) Fail("objects cannot be placed here");
        Next();
        Child(*container);
        continue;
      }
      int line = tok_.Line;
      std::string path = Ident("property name");
      ExpectSymbol("=");
      Value v = ParseValue();
      Assign(target, path, v, line);
    }
  }

  void Child(TComponent& container) {
    int line = tok_.Line;
    const auto header = Header();
    const std::string& name = header.first;
    const std::string& cls = header.second;
    const TClassInfo* info = FindClass(cls);
    if (!info) Fail("unknown class " + cls, line);
    TComponent* c = nullptr;
    Apply([&] {
      c = info->Factory(&root_);
      c->BeginLoading();
      c->SetName(name);
      created_.push_back(c);
      if (&container != &root_ || dynamic_cast<TControl*>(c)) c->SetParentComponent(&container);
      root_.AssignField(name, c);
    }, line);
    Body(*c, c);
  }

  Value ParseValue() {
    Value v;
    v.Line = tok_.Line;
    switch (tok_.Kind) {
      case Tok::String: v.Kind = Value::String; v.Text = Utf8ToAnsi(tok_.Text); Next(); return v;
      case Tok::Number: v.Kind = Value::Number; v.Int = tok_.Number; Next(); return v;
      case Tok::Ident: v.Kind = Value::Ident; v.Text = tok_.Text; Next(); return v;
      default: break;
    }
    if (IsSymbol("[")) {
      Next();
      v.Kind = Value::Set;
      while (!IsSymbol("]")) {
        v.Items.push_back(Ident("set element"));
        if (IsSymbol(",")) Next();
        else if (!IsSymbol("]")) Fail("',' or ']' expected");
      }
      Next();
      return v;
    }
    if (IsSymbol("(")) {
      Next();
      v.Kind = Value::List;
      while (!IsSymbol(")")) {
        if (tok_.Kind == Tok::String) v.Items.push_back(Utf8ToAnsi(tok_.Text));
        else if (tok_.Kind == Tok::Number) v.Items.push_back(std::to_string(tok_.Number));
        else Fail("string expected in a list");
        Next();
      }
      Next();
      return v;
    }
    if (IsSymbol("<")) {
      Next();
      v.Kind = Value::Collection;
      while (!IsSymbol(">")) {
        Expect("item");
        std::vector<std::pair<std::string, Value>> props;
        while (!IsWord("end")) {
          if (tok_.Kind == Tok::End) Fail("'end' expected");
          std::string path = Ident("property name");
          ExpectSymbol("=");
          props.emplace_back(path, ParseValue());
        }
        Next();
        v.Elements.push_back(std::move(props));
      }
      Next();
      return v;
    }
    Fail("value expected");
  }

  static std::string KindName(const Value& v) {
    switch (v.Kind) {
      case Value::String: return "a string";
      case Value::Number: return "a number";
      case Value::Ident: return "a name";
      case Value::Set: return "a set";
      case Value::List: return "a list";
      default: return "a collection";
    }
  }

  void Assign(TPersistent& target, const std::string& path, const Value& v, int line) {
    TPropRef prop;
    try {
      prop = FindPropRef(target, path);
    } catch (const EConvertError&) {
      Fail("unknown property " + path + " of " + target.ClassName(), line);
    }
    auto wrong = [&] { Fail("property " + path + " cannot take " + KindName(v), line); };
    switch (prop.Info->Kind) {
      case TPropKind::String:
        if (v.Kind != Value::String) wrong();
        Apply([&] { SetStrProp(prop, v.Text); }, line);
        return;
      case TPropKind::Integer:
        if (v.Kind == Value::Number) Apply([&] { SetOrdProp(prop, Int32(v, line)); }, line);
        else if (v.Kind == Value::String && path.find("ShortCut") != std::string::npos) {
          TShortCut sc = TextToShortCut(v.Text);
          if (!sc && !v.Text.empty()) Fail("'" + v.Text + "' is not a shortcut", line);
          Apply([&] { SetOrdProp(prop, sc); }, line);
        } else if (v.Kind == Value::Ident) {
          Apply([&] { SetPropText(prop, v.Text); }, line);  // named constants (crHandPoint)
        } else {
          wrong();
        }
        return;
      case TPropKind::Boolean:
      case TPropKind::Enum:
      case TPropKind::Color:
        if (v.Kind == Value::Ident) Apply([&] { SetPropText(prop, v.Text); }, line);
        else if (v.Kind == Value::Number) Apply([&] { SetOrdProp(prop, Int32(v, line)); }, line);
        else wrong();
        return;
      case TPropKind::Set: {
        if (v.Kind != Value::Set) wrong();
        std::string text = "[";
        for (size_t i = 0; i < v.Items.size(); ++i) text += (i ? "," : "") + v.Items[i];
        Apply([&] { SetPropText(prop, text + "]"); }, line);
        return;
      }
      case TPropKind::Strings:
        if (v.Kind == Value::List) Apply([&] { SetStringsProp(prop, v.Items); }, line);
        else if (v.Kind == Value::String) Apply([&] { SetStringsProp(prop, {v.Text}); }, line);
        else wrong();
        return;
      case TPropKind::Component:
        if (v.Kind != Value::Ident) wrong();
        fixups_.push_back({&target, path, v.Text, line});
        return;
      case TPropKind::Event: {
        if (v.Kind != Value::Ident) wrong();
        const std::any* handler = root_.FindHandler(v.Text);
        if (!handler) Fail("handler " + v.Text + " for " + path + " not found in " + root_.ClassName(), line);
        Apply([&] { SetEventProp(prop, *handler); }, line);
        return;
      }
      case TPropKind::Collection: {
        if (v.Kind != Value::Collection) wrong();
        auto* coll = dynamic_cast<TCollectionBase*>(std::get<TPersistent*>(GetPropValue(prop)));
        if (!coll) Fail("property " + path + " is not a collection", line);
        coll->Clear();
        for (const auto& element : v.Elements) {
          TPersistent* item = coll->AddItem();
          for (const auto& [p, value] : element) Assign(*item, p, value, value.Line);
        }
        return;
      }
      case TPropKind::Object: Fail("property " + path + " takes no value; set its parts (" + path + ".Name = ...)", line);
    }
  }

  TComponent& root_;
  std::string_view text_;
  std::string source_;
  size_t pos_ = 0;
  int line_ = 1;
  Token tok_;
  std::vector<Fixup> fixups_;
  std::vector<TComponent*> created_;
};

}  // namespace

void RegisterFormLayout(const std::string& className, const std::string& sourceName, std::string_view text) {
  Layouts()[Upper(className)] = Layout{sourceName, text};
}

bool HasFormLayout(const std::string& className) { return Layouts().count(Upper(className)) > 0; }

void ReadComponentRes(TComponent& root) {
  auto it = Layouts().find(Upper(root.ClassName()));
  if (it == Layouts().end()) throw EInvalidOperation("Resource " + root.ClassName() + " not found");
  ReadLayout(root, it->second.Text, it->second.Source);
}

void ReadLayout(TComponent& root, std::string_view text, const std::string& sourceName) {
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Reader(root, text, sourceName).Run();
}
