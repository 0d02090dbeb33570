@echo off
rem Quil: opens the settings utility of this skin in the skin folder.
cd /d "%~dp0"
start "" QuilConfig.exe %*
