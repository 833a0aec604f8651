#include <gtest/gtest.h>

#include "tests/support/GuiTest.h"
