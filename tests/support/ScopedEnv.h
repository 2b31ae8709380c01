// ScopedEnv.h — an environment variable set for one scope, given back as
// it was (set to its old value or unset) when the scope ends.
#pragma once
#include <cstdlib>
#include <string>

namespace sxtest {

class TEnvVar {
public:
  TEnvVar(const char* Name, const std::string& Value) : FName(Name) {
    if (const char* Old = std::getenv(Name)) FOld = Old, FHad = true;
    setenv(Name, Value.c_str(), 1);
  }
  ~TEnvVar() { FHad ? setenv(FName, FOld.c_str(), 1) : unsetenv(FName); }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

private:
  const char* FName;
  std::string FOld;
  bool FHad = false;
};

}  // namespace sxtest
