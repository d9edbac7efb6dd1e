#pragma once
// Where the stand-in finds its configuration: the file named by the
// environment variable HF_STANDIN_CONFIG, else "rtlsdr-standin.ini" beside the
// library itself, else the built-in one.

#include "standin/config.h"

StandinConfig loadConfig();
