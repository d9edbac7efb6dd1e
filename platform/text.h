#pragma once
// Conversions at the border between the program's UTF-8 strings and Windows'
// UTF-16 ones, and the whole text of a control.

#include <string>

#include <windows.h>

std::wstring wide(const std::string& utf8);
std::string narrow(const std::wstring& utf16);
std::wstring text(HWND window);
