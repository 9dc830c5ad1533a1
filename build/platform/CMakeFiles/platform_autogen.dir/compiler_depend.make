# Empty custom commands generated dependencies file for platform_autogen.
# This may be replaced when dependencies are built.
