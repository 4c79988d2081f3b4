"""The package under test is built from this checkout and installed into a fresh virtual
environment, once per test session, exactly as python/README.md tells a user to; the tests
then import it from there, never from the source folder."""
import subprocess
import sys
from pathlib import Path

import pytest

REPOSITORY = Path(__file__).resolve().parents[2]
PACKAGE = REPOSITORY / "python"


def run(command, **options):
    """Runs a command; its output is shown when it fails."""
    result = subprocess.run(command, capture_output=True, text=True, **options)
    assert result.returncode == 0, f"{command} failed:\n{result.stdout}\n{result.stderr}"
    return result


@pytest.fixture(scope="session")
def venv(tmp_path_factory) -> Path:
    """A fresh virtual environment with the package installed by pip."""
    where = tmp_path_factory.mktemp("venv") / "env"
    run([sys.executable, "-m", "venv", "--system-site-packages", str(where)])
    run([str(where / "bin" / "pip"), "install", "--no-build-isolation", str(PACKAGE)], timeout=900)
    return where


@pytest.fixture(scope="session")
def kxcalc(venv):
    """The installed package, imported into this test process."""
    site_packages = run([str(venv / "bin" / "python"), "-c", "import sysconfig; print(sysconfig.get_path('platlib'))"])
    site_packages = site_packages.stdout.strip()
    sys.path.insert(0, site_packages)
    import kxcalc as installed
    assert Path(installed.__file__).is_relative_to(venv), installed.__file__
    return installed
