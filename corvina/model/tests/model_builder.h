#pragma once
// The test model builder lives in corvina/testing, shared by every test
// program; this name stays for the tests that include it from here.

#include "testing/model_builder.h"
