# Empty custom commands generated dependencies file for redivev_app_autogen.
# This may be replaced when dependencies are built.
