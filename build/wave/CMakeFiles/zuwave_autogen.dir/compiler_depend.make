# Empty custom commands generated dependencies file for zuwave_autogen.
# This may be replaced when dependencies are built.
