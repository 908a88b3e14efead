#pragma once
// Kept for the test folders that still include it by this name.
#include "support/tempfolder.h"
