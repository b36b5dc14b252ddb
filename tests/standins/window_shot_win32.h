// Screenshots of one window as a 24-bit BMP file, taken with BitBlt from the screen (PrintWindow gives blanks).
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowBitmap(HWND window, const std::wstring& path);
