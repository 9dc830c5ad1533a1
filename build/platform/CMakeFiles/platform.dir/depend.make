# Empty dependencies file for platform.
# This may be replaced when dependencies are built.
