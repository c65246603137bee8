#pragma once
// Several Qt Test classes in one executable: each test file registers its class with
// ZELCOR_TEST(Class); testmain.cpp runs them all. Set ZELCOR_TEST_ONLY=Class to run one.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace zelcor::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<std::pair<const char*, TestFactory>>& registry();

struct Registration {
    Registration(const char* name, TestFactory factory) { registry().emplace_back(name, std::move(factory)); }
};

} // namespace zelcor::test

#define ZELCOR_TEST(Class)                                                                                             \
    static const zelcor::test::Registration zelcorTestRegistration##Class(                                             \
        #Class, [] { return std::unique_ptr<QObject>(new Class); });
