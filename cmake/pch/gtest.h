// GoogleTest and the standard headers every test includes; compiled once per test
// program instead of once per source.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>
