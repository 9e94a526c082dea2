// Release keys and signatures made by Debian's minisign, as an operator
// makes them (Linux only: the tests under Wine cannot start it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "sim/Harness.h"

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// A key made by minisign with an empty password, as an operator makes one.
class SigningKey {
 public:
  SigningKey(const TempDir& dir, const std::string& name)
      : pub_((dir.path() / (name + ".pub")).string()),
        secret_((dir.path() / (name + ".key")).string()) {
    const std::string command = "minisign -G -W -p " + Quoted(pub_) + " -s " + Quoted(secret_) +
                                " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(pub_);
    std::string line;
    std::getline(in, line);
    id_ = line.substr(line.rfind(' ') + 1);
  }
  const std::string& pub() const { return pub_; }
  const std::string& id() const { return id_; }
  void sign(const std::string& file, const std::string& comment, bool legacy = false,
            const std::string& signature = "") const {
    const std::string command = "minisign -S -s " + Quoted(secret_) + " -m " + Quoted(file) +
                                " -x " + Quoted(signature.empty() ? file + ".minisig" : signature) +
                                " -t " + Quoted(comment) + (legacy ? " -l" : "") +
                                " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }

 private:
  std::string pub_, secret_, id_;
};

