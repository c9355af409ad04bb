// A folder of the running test's own, for tests that write files: under the
// system's temporary folder, named from a prefix, the process and the test,
// so that test programs running side by side never share one.
#pragma once

#include <filesystem>
#include <string>

// The folder's path, with anything an earlier run left there removed. The
// folder itself is not made.
std::filesystem::path FreshTestFolder(const std::string& prefix);
