// The root of the program's class tree: what string lists hold as objects and
// what components derive from.
#pragma once

class TObject {
public:
  virtual ~TObject() = default;
};
