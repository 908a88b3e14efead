#pragma once
// The commit machinery has a folder of its own; this name stays for code written before.
#include "core/commit/workingfiles_detail.h"
