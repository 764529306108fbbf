// Where the program keeps its settings: the product key under HKEY_CURRENT_USER.
#pragma once

inline constexpr const char* kProductKey = "Software\\Vortanel\\Quillomark";
