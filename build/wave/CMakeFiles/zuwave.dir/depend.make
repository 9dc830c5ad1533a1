# Empty dependencies file for zuwave.
# This may be replaced when dependencies are built.
