// A snapshot of stored properties of a form's components in memory (what a dialog showed when
// it opened, put back on Cancel), named as the form storage names them: "Component.Property"
// under "Component_Property" as text; a sub-object (Font, Brush) gives one text per property of
// its own under the value name, "." and the property name.
#pragma once

#include <map>
#include <string>
#include <vector>

class TComponent;

// Texts of stored properties by value name.
using TStoredValues = std::map<std::string, std::string>;

// The current texts of the properties named by `paths` (each "Component.Property") of the
// form's components; a property the component does not publish is skipped.
TStoredValues CaptureStoredProps(TComponent& form, const std::vector<std::string>& paths);
// Sets the properties from `values`; a property without a value keeps what it has, and a
// value that does not fit its property is skipped.
void ApplyStoredProps(TComponent& form, const std::vector<std::string>& paths, const TStoredValues& values);

