// Ids of the drawing tests' own resources.
#pragma once

#define IDB_STRIP 100
