#pragma once
// What the program finds on the machine it runs on, in the lab's JSON form:
// the system's version, the network providers, and the machine and account
// of the session ("localMachine", "loggedOn").

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

template <class J>
void readSystem(const J& root, Network& net);
Json writeSystem(const Network& net);

template <class J>
void readNetworkProviders(const J& root, Network& net);

// Throws a Fault unless the lab's local machine and logged-on account exist.
void checkSession(const Network& net);

}  // namespace lab::json
