# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for redivev_app_autogen.
