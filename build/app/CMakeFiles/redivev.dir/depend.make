# Empty dependencies file for redivev.
# This may be replaced when dependencies are built.
