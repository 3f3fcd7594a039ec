<#
.SYNOPSIS
Runs the end-to-end suites of one or more builds natively on Windows 10 or 11.

.DESCRIPTION
For each folder of built programs (build\win64\bin or build\win32\bin, as the Linux build leaves them), runs every
test of every *_e2e.exe in a process of its own, as ctest does under Wine, then the variants that bin\e2e-variants.txt
lists (one test run again with another environment). Each run writes a JUnit XML file to
<Results>\<win64|win32>\<test>.xml; the summary goes to the console and to <Results>\summary.txt.
The 64-bit programs' processes may each commit at most 3072 MB (QN_ADDRESS_LIMIT_MB, as under Wine), so that a
reservation of the default size does not take all of the machine's memory. Cases that need Wine report themselves
as skipped, with the reason.
Exits 1 when a test failed, ran out of time or was not found, else 0. Runs in Windows PowerShell 5.1 and in
PowerShell 7.

.EXAMPLE
pwsh scripts/windows-e2e.ps1 -Bin build\win64\bin, build\win32\bin -Results e2e-results
#>
param(
    [Parameter(Mandatory = $true)] [string[]] $Bin,
    [string] $Results = 'e2e-results',
    [int] $TimeoutSeconds = 300
)
$ErrorActionPreference = 'Stop'

# The architecture of a program, from the machine field of its PE header.
function Get-Architecture([string] $program) {
    $bytes = [System.IO.File]::ReadAllBytes($program)
    $header = [System.BitConverter]::ToInt32($bytes, 0x3C)
    switch ([System.BitConverter]::ToUInt16($bytes, $header + 4)) {
        0x8664 { return 'win64' }
        0x014C { return 'win32' }
        default { throw "$program is neither an x86-64 nor an i386 program" }
    }
}

# The tests of a GoogleTest program as Suite.Test names.
function Get-TestNames([string] $program) {
    $suite = ''
    foreach ($line in & $program --gtest_list_tests) {
        if ($line -match '^(\S+)\.$') { $suite = $Matches[1] }
        elseif ($line -match '^\s+(\S+)') { "$suite.$($Matches[1])" }
    }
}

# Runs one test in a process of its own with `environment` (name -> value; an empty value removes the variable)
# added; returns passed, skipped, failed, timed out or not found.
function Invoke-Test([string] $program, [string] $test, [string] $xml, [hashtable] $environment) {
    $start = [System.Diagnostics.ProcessStartInfo]::new($program, "--gtest_filter=$test `"--gtest_output=xml:$xml`"")
    $start.UseShellExecute = $false
    $start.WorkingDirectory = Split-Path $program
    foreach ($name in $environment.Keys) {
        if ($environment[$name]) { $start.EnvironmentVariables[$name] = $environment[$name] }
        else { $start.EnvironmentVariables.Remove($name) }
    }
    $process = [System.Diagnostics.Process]::Start($start)
    if (-not $process.WaitForExit($TimeoutSeconds * 1000)) {
        # With every program the test started.
        & taskkill.exe /T /F /PID $process.Id | Out-Null
        return 'timed out'
    }
    if ($process.ExitCode -ne 0 -or -not (Test-Path $xml)) { return 'failed' }
    $report = Get-Content -Path $xml -Raw
    # A filter that matches nothing runs nothing, and GoogleTest calls that a success.
    if ($report -match '<testsuites tests="0"') { return 'not found' }
    if ($report -match '<skipped') { return 'skipped' }
    return 'passed'
}

$outcomes = [System.Collections.Generic.List[object]]::new()
foreach ($folder in $Bin) {
    $folder = (Resolve-Path $folder).Path
    $arch = Get-Architecture (Join-Path $folder 'Qelto.exe')
    $out = Join-Path $Results $arch
    New-Item -ItemType Directory -Force -Path $out | Out-Null
    $out = (Resolve-Path $out).Path
    # The runner tells the driver's own test where it runs.
    $base = @{ QN_E2E_HOST = 'windows' }
    if ($arch -eq 'win64') { $base.QN_ADDRESS_LIMIT_MB = '3072' }

    $runs = foreach ($program in Get-ChildItem -Path $folder -Filter '*_e2e.exe' | Sort-Object Name) {
        $tests = @(Get-TestNames $program.FullName)
        # A program that lists no test is run whole, so that whatever keeps it from listing them is reported.
        if ($tests.Count -eq 0) { $tests = @('*') }
        foreach ($test in $tests) {
            $name = if ($test -eq '*') { $program.BaseName } else { $test }
            [pscustomobject]@{ Name = $name; Program = $program.FullName; Test = $test; Environment = @{} }
        }
    }
    $variants = Join-Path $folder 'e2e-variants.txt'
    if (Test-Path $variants) {
        $runs = @($runs) + @(foreach ($line in Get-Content $variants | Where-Object { $_ }) {
                $name, $program, $test, $assignments = $line -split '\|', 4
                $environment = @{}
                foreach ($assignment in $assignments -split ' ' | Where-Object { $_ }) {
                    $variable, $value = $assignment -split '=', 2
                    $environment[$variable] = $value
                }
                [pscustomobject]@{
                    Name = $name; Program = (Join-Path $folder $program); Test = $test; Environment = $environment
                }
            })
    }

    foreach ($run in $runs) {
        $environment = $base.Clone()
        foreach ($name in $run.Environment.Keys) { $environment[$name] = $run.Environment[$name] }
        $xml = Join-Path $out (($run.Name -replace '[\\/:*?"<>|]', '_') + '.xml')
        $outcome = Invoke-Test $run.Program $run.Test $xml $environment
        Write-Host ('{0,-10} {1} {2}' -f $outcome, $arch, $run.Name)
        $outcomes.Add([pscustomobject]@{ Arch = $arch; Name = $run.Name; Outcome = $outcome })
    }
}

$summary = $outcomes | Group-Object Outcome | ForEach-Object { "$($_.Count) $($_.Name)" }
$failed = @($outcomes | Where-Object { $_.Outcome -notin 'passed', 'skipped' })
$lines = @("end-to-end tests on Windows: $($summary -join ', ')") +
    @($failed | ForEach-Object { "FAILED: $($_.Arch) $($_.Name)" })
$lines | Set-Content -Path (Join-Path $Results 'summary.txt') -Encoding utf8
$lines | Write-Host
$passed = @($outcomes | Where-Object Outcome -eq 'passed').Count
$skipped = @($outcomes | Where-Object Outcome -eq 'skipped').Count
Write-Host "$passed passed, $($failed.Count) failed, $skipped skipped"
exit ([int]($failed.Count -gt 0))
