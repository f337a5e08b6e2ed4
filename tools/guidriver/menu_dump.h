// The contract between the driver and guidriver_hook.dll: a registered message
// asks for the menu, and the answer is text lines in a named file mapping.
#pragma once

#include <cstddef>

inline constexpr char guidriver_menu_message[] = "olvex_guidriver_dump_menu";
// Formatted with the driver's process id, which travels in wParam.
inline constexpr char guidriver_menu_mapping_format[] = "olvex_guidriver_menu_%lu";
inline constexpr std::size_t guidriver_menu_mapping_size = 64 * 1024;
