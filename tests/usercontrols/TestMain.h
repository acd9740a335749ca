#pragma once

// The test classes of this module run one after the other in one executable:
// each file adds its class with QUILLAR_TEST_CLASS, TestMain.cpp runs them all.
#include <QObject>

#include <functional>
#include <vector>

namespace testmain {
using Factory = std::function<QObject*()>;
std::vector<std::pair<const char*, Factory>>& classes();
struct Add
{
    Add(const char* name, Factory f) { classes().emplace_back(name, std::move(f)); }
};
} // namespace testmain

#define QUILLAR_TEST_CLASS(cls) \
    static const testmain::Add cls##_added(#cls, [] { return static_cast<QObject*>(new cls); });
