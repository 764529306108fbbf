// Stored properties of a form's components, kept in a registry section of the product key the
// way the form storage keeps them: "Component.Property" is stored under the value name
// "Component_Property" as text (numbers and colours in decimal, enumerations and Booleans by
// identifier, sets as "[a,b]"); a sub-object (Font, Brush) stores each of its own properties
// under the value name, "." and the property name.
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

// Writes the properties to `section` of the product key / reads them back from it.
void SaveStoredProps(TComponent& form, const std::vector<std::string>& paths, const std::string& section);
void RestoreStoredProps(TComponent& form, const std::vector<std::string>& paths, const std::string& section);
