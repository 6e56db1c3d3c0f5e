#pragma once
// The shared text routines: 8-bit strings, 1-based positions, 0 for "not
// found", pattern first and searched text second.
#include <string>

std::string::size_type FirstPosNotIn(const std::string& s, const std::string& allowed);
std::string ReplaceAllStr(const std::string& s, const std::string& find,
                          const std::string& replace);
std::string PadRightStr(const std::string& s, char fill, int width);
std::string PadLeftStr(const std::string& s, char fill, int width);
std::string LeftStr(const std::string& s, int count);
std::string RightStr(const std::string& s, int count);
int ScanStr(const std::string& sub, const std::string& s, std::string::size_type& lastPos);
int CountStr(const std::string& sub, const std::string& s);
std::string::size_type LastPosStr(const std::string& sub, const std::string& s);
std::string BeforeStr(const std::string& sub, const std::string& s);
std::string AfterStr(const std::string& sub, const std::string& s);
std::string TrimStr(const std::string& s);
bool IsTimeStr(const std::string& s);
bool IsAlphaStr(const std::string& s);
bool IsFloatStr(const std::string& s);
bool IsIntStr(const std::string& s);
std::string FloatToStrSep(double value, int width, int decimals, char separator);
std::string BoolToStr(bool b);
std::string BoolToJaNee(bool b);
