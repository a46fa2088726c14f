// Start-up, memory and size figures of the shipped program and a bare one.
#pragma once

#include <string>

void StartupFigures(const std::string& velomar, const std::string& bare);
