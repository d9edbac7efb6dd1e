#pragma once
// The one way a failed condition becomes an exception.

void check(bool condition, const char* message);
