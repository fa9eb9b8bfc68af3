#pragma once
// Identifiers of lirabox.exe's resources, shared by the resource scripts and the code.

// The program's icon: the first icon group, so the shell shows it for the file too.
#define IDI_LIRABOX 1
