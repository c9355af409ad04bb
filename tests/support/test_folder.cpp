#include "tests/support/test_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

std::filesystem::path FreshTestFolder(const std::string& prefix) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (prefix + "-" + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return folder;
}
