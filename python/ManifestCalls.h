#pragma once
// manifest_lines: the manifest lines redivev-split writes, for the records
// that split_file and list_file return, so that a job of one's own writes
// byte for byte the manifest the command would.
#include <pybind11/pybind11.h>

void DefineManifestCalls(pybind11::module_ &Module);
