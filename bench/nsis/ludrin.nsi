; The benchmark's peer: the base installation's files put in place by an NSIS installer.
; makensis -DPAYLOAD=<folder of bench/make_real_payload.py> -DCOMPRESSOR=zlib|lzma
;          [-DSOLID] -DOUTFILE=<installer>
; The same job as ours: the archive's tree into the roaming application data folder, the
; two programs into Documents\Ludrin, the desktop shortcut, per user; the three codec
; installers travel in the installer as ours do, unused by this job.
Unicode true
Target amd64-unicode
!ifdef SOLID
SetCompressor /SOLID ${COMPRESSOR}
!else
SetCompressor ${COMPRESSOR}
!endif
RequestExecutionLevel user
Name "Ludrin"
OutFile "${OUTFILE}"
InstallDir "$DOCUMENTS\Ludrin"
ShowInstDetails nevershow

; The first page is the window a user sees at start-up (the start-up figure's peer).
Page directory
Page instfiles

ReserveFile "${PAYLOAD}/LAVFilters-0.75.0-2.exe"
ReserveFile "${PAYLOAD}/ffdshow_rev4532_20140717_clsid.exe"
ReserveFile "${PAYLOAD}/AviSynth_260.exe"

Section
    SetOutPath "$APPDATA\brvdll"
    File /r "${PAYLOAD}/tree/brvdll/*"
    CreateDirectory "$APPDATA\brvdll\regset"
    SetOutPath "$DOCUMENTS\Ludrin"
    File "${PAYLOAD}/LUD.exe"
    File "${PAYLOAD}/Ludrin.exe"
    CreateShortcut "$DESKTOP\Ludrin 4.lnk" "$DOCUMENTS\Ludrin\LUD.exe"
SectionEnd
