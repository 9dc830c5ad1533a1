# Empty dependencies file for redivev_app.
# This may be replaced when dependencies are built.
