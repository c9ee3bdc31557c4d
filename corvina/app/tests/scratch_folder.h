#pragma once
// The scratch folder lives in corvina/testing, shared by every test program;
// this name stays for the tests that include it from here.

#include "testing/scratch_folder.h"
