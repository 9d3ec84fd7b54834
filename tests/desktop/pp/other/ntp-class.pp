# @summary Installs, configures and runs the NTP service.
#
# @param servers
#   The time servers to ask.
class ntp (
  Array[String] $servers = ['0.debian.pool.ntp.org', '1.debian.pool.ntp.org'],
) {
  package { 'ntp':
    ensure => installed,
  }

  file { '/etc/ntp.conf':
    ensure  => file,
    content => epp('ntp/ntp.conf.epp', { 'servers' => $servers }),
    require => Package['ntp'],
    notify  => Service['ntp'],
  }

  service { 'ntp':
    ensure => running,
    enable => true,
  }
}
