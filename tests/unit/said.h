// What a piece of test code prints on standard output, where the debug
// channel, the loaders and the copier report.
#pragma once

#include <gtest/gtest.h>

#include <string>

template <class F> std::string said(F f)
{
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}
