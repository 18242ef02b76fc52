#pragma once
// The lab file format: reading (with checks that name the place of every
// fault) and writing.

#include <memory>
#include <string>
#include <string_view>

#include "platform/lab/lab_text.h"
#include "platform/lab/model.h"

namespace lab {

// Parses and checks a lab. On failure returns null and sets *error to
// "<source>: <where>: <problem>".
std::unique_ptr<Network> parseLab(std::string_view text, std::string_view source,
                                  std::string* error);
std::string writeLab(const Network& network);

// The fast reader: the network, or null when the lab has any fault (or
// anything this reader leaves to parseLab, which then names the fault). It
// empties `text` once the document no longer needs it, so that a big lab's
// text, document and network are never all in memory at once.
std::unique_ptr<Network> parseLabQuickly(LabText& text);

// Gives machines that keep their own accounts but were written without any
// the accounts such a machine starts with, and indexes every database.
void completeNetwork(Network& network);

// A machine's SID derived from its name, so that labs stay reproducible.
platform::SID machineSid(std::string_view machineName);

}  // namespace lab
