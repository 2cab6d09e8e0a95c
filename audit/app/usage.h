#pragma once
// The banner and usage text of Vald2600 (standard error).

inline constexpr char TOOL_NAME[] = "Vald2600";
inline constexpr char TOOL_VERSION[] = "0.999.3 BETA";

void print_banner();
void print_usage();
