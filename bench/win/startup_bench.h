// Start-up, memory and size figures of the shipped program and a bare one.
#pragma once

#include <functional>
#include <string>

// Milliseconds from the performance counter, for timing spans in a bench.
double NowMs();

using RowWriter = std::function<void(const char* name, double measured, double baseline)>;

void StartupFigures(const std::string& velomar, const std::string& bare, const RowWriter& row);
