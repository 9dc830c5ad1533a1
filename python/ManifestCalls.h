#pragma once
// manifest_lines: the manifest lines redivev-split writes, for the records
// that split_file and list_file return, so that a job of one's own writes
// byte for byte the manifest the command would.
#include "split/BatchOptions.h"

#include <pybind11/pybind11.h>

#include <string>

// The format a manifest_lines or split_files caller names: nemo, csv or
// json, the manifests that are one file; ValueError for any other.
TManifestFormat ManifestFormatOf(const std::string &Name);

void DefineManifestCalls(pybind11::module_ &Module);
