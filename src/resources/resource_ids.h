// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDI_SAVER 100
#define IDB_LOGO 115
