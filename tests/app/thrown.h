#pragma once
// Test helper: the message a call throws.

#include <exception>
#include <string>

namespace app_test {

template <typename Call>
std::string thrownMessage(Call call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

}  // namespace app_test
