#pragma once
int RunInstance(const char* Name);
