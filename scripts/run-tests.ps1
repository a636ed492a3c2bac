# Runs every test program of a test bundle (scripts/release.sh --tests) on Windows itself, from whatever folder
# the bundle was unpacked to, and prints each program's own results. Fails if a program fails, times out, or
# reports itself skipped as a whole, which on Windows means the bundle did not run where it should.
#   powershell -ExecutionPolicy Bypass -File run-tests.ps1
param([int]$TimeoutSeconds = 300)
$ErrorActionPreference = 'Stop'
Set-Location -LiteralPath $PSScriptRoot
$logs = Join-Path ([IO.Path]::GetTempPath()) ("tessival-tests-" + $PID)
New-Item -ItemType Directory -Force -Path $logs | Out-Null

$failed = @()
$programs = @(Get-ChildItem -LiteralPath (Join-Path $PSScriptRoot 'tests') -Filter '*_tests.exe' | Sort-Object Name)
if ($programs.Count -eq 0) {
    Write-Host "No test programs in $PSScriptRoot\tests"
    exit 1
}
foreach ($program in $programs) {
    Write-Host "== $($program.Name)"
    $out = Join-Path $logs "$($program.BaseName).out"
    $err = Join-Path $logs "$($program.BaseName).err"
    $process = Start-Process -FilePath $program.FullName -ArgumentList '--gtest_color=no' -NoNewWindow -PassThru `
        -WorkingDirectory $program.DirectoryName -RedirectStandardOutput $out -RedirectStandardError $err
    # Without a look at the handle while the process runs, ExitCode stays empty once it has ended.
    $null = $process.Handle
    $finished = $process.WaitForExit($TimeoutSeconds * 1000)
    if (-not $finished) {
        $process.Kill()
    }
    $lines = @(Get-Content -LiteralPath $out, $err -ErrorAction SilentlyContinue)
    $lines | ForEach-Object { Write-Host $_ }
    if (-not $finished) {
        Write-Host "TIMEOUT: $($program.Name) ran longer than $TimeoutSeconds s"
        $failed += $program.Name
    } elseif ($process.ExitCode -eq 77) {
        # The test programs' own code for having skipped every test they ran.
        Write-Host "SKIPPED AS A WHOLE: $($program.Name)"
        $failed += $program.Name
    } elseif ($process.ExitCode -ne 0) {
        Write-Host "FAILED: $($program.Name) (exit code $($process.ExitCode))"
        $failed += $program.Name
    }
}
Remove-Item -Recurse -Force -LiteralPath $logs -ErrorAction SilentlyContinue

$passedCount = $programs.Count - $failed.Count
if ($failed.Count -gt 0) {
    Write-Host "Failed: $($failed -join ', ')"
}
Write-Host "$passedCount passed, $($failed.Count) failed"
if ($failed.Count -gt 0) {
    exit 1
}
exit 0
