#pragma once
// The lab file format: reading (with checks that name the place of every
// fault) and writing.

#include <memory>
#include <string>
#include <string_view>

#include "platform/lab/model.h"

namespace lab {

// Parses and checks a lab. On failure returns null and sets *error to
// "<source>: <where>: <problem>".
std::unique_ptr<Network> parseLab(std::string_view text, std::string_view source,
                                  std::string* error);
std::string writeLab(const Network& network);

// Gives machines that keep their own accounts but were written without any
// the accounts such a machine starts with, and indexes every database.
void completeNetwork(Network& network);

// A machine's SID derived from its name, so that labs stay reproducible.
platform::SID machineSid(std::string_view machineName);

}  // namespace lab
